var s: String;
begin
  for s := 1 to 3 do ShowMessage(s);
end.
// expect error: 3:8: For loop variable must be numeric variable
