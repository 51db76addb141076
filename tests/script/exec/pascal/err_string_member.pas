var s: String;
begin
  s := s.Length;
end.
// expect error: 3:16: Strings doesn't have properties or methods
