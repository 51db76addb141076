const c = 1;
begin
  c := 2;
end.
// expect error: 3:3: Left side cannot be assigned to
