var a: Integer;
    a: String;
begin
end.
// expect error: 2:6: Identifier redeclared: 'a'
