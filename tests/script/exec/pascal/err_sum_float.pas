var i: Integer;
begin
  i := 1 + 2.5;
end.
// expect error: 3:8: Incompatible types: 'Integer', 'Extended'
