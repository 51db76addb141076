var s: String;
begin
  s := IntToStr();
end.
// expect error: 3:16: Not enough actual parameters
