// Addresses, type casts, nested designators, Char variables and constants.
const Greeting = 'hi'; Limit = 2 * 5;
var p: String; c: Char; list: TStringList; o: TObject; big: Int64; f: Extended;
procedure Target; begin end;
begin
  p := @Target;
  ShowMessage(p);                               // expect: Target
  c := 'x';
  ShowMessage(c + Greeting + IntToStr(Limit));  // expect: xhi10
  list := TStringList.Create;
  o := list;
  TStringList(o).Add('cast');
  ShowMessage(TStringList(o)[0] + IntToStr(TStringList(o).Count));  // expect: cast1
  ShowMessage(Copy(UpperCase(list[0]), 2, 2));  // expect: AS
  big := 2147483647;
  big := big + 1;
  ShowMessage(VarToStr(big));                   // expect: 2147483648
  f := 1;
  f := f / 4;
  ShowMessage(FloatToStr(f));                   // expect: 0,25
  list.Free;
end.
