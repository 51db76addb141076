// VarArrayCreate keeps the element type of every type code: VarType reports it and the elements
// start as that type's zero.
var d, c, b, w, s: Variant;
begin
  d := VarArrayCreate([0, 1], varDate);
  ShowMessage(IntToStr(VarType(d)));             // expect: 8199
  ShowMessage(IntToStr(VarType(d[0])));          // expect: 7
  c := VarArrayCreate([0, 1], varCurrency);
  ShowMessage(IntToStr(VarType(c)));             // expect: 8198
  ShowMessage(VarToStr(c[1] + 1));               // expect: 1
  b := VarArrayCreate([1, 2], varByte);
  ShowMessage(IntToStr(VarType(b[2])));          // expect: 17
  w := VarArrayCreate([0, 0, 0, 1], varSmallint);
  ShowMessage(IntToStr(VarType(w)));             // expect: 8194
  s := VarArrayCreate([0, 1], varSingle);
  ShowMessage(IntToStr(VarType(s[1])));          // expect: 4
  ShowMessage(IntToStr(VarType(VarArrayCreate([0, 1], varVariant))));  // expect: 8204
end.
