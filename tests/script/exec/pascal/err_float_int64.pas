// A Float target takes Integer and Float values; an Int64 (a literal beyond 32 bits) is not among them.
var f: Extended;
begin
  f := 0.5 + 2147483648;
end.
// expect error: 4:13: Incompatible types
