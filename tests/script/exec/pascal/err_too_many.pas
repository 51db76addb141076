var s: String;
begin
  s := IntToStr(1, 2);
end.
// expect error: 3:16: Too many actual parameters
