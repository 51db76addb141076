begin
  if 'a' and 'b' then ShowMessage('x');
end.
// expect error: 2:13: Incompatible types
