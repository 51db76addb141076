begin
  x := 1;
end.
// expect error: 2:4: Undeclared identifier: 'x'
