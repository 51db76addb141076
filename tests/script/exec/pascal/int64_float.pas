// An Int64 variable takes Float values (rounded, ties to even); only Integer refuses them.
var big: Int64;
begin
  big := 2.5;
  ShowMessage(IntToStr(big));          // expect: 2
  big := 1.5 * 4000000000.0;
  ShowMessage(IntToStr(big));          // expect: 6000000000
end.
