// expect error: 3:6: Expression expected
begin
  if then x := 1
end.
