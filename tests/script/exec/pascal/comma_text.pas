// CommaText: items separated by commas or blanks, double quotes around items that hold them.
var L: TStringList;
begin
  L := TStringList.Create;
  L.CommaText := 'x,"y z",w';
  ShowMessage(IntToStr(L.Count) + ' ' + L[1]);        // expect: 3 y z
  L.CommaText := 'a b,c';
  ShowMessage(IntToStr(L.Count));                     // expect: 3
  L.Clear;
  L.Add('has space');
  L.Add('plain');
  L.Add('q"uote');
  L.Add('');
  ShowMessage(L.CommaText);                           // expect: "has space",plain,"q""uote",
  L.CommaText := L.CommaText;
  ShowMessage(IntToStr(L.Count) + ' ' + L[2]);        // expect: 4 q"uote
  L.Clear;
  L.Add('');
  ShowMessage(L.CommaText);                           // expect: ""
  L.Free;
end.
