var s: String;
begin
  s := 1;
end.
// expect error: 3:8: Incompatible types: 'String', 'Integer'
