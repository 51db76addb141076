const c = 1;
begin
  c := 2;
end.
// expect error: 3:4: Left side cannot be assigned to
