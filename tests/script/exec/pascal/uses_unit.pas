// A unit's declarations and main block join the program (once, however often it is named).
uses 'helpers.inc', 'helpers.inc';
begin
  ShowMessage(IntToStr(Doubled(UnitCounter)));  // expect: 20
end.
