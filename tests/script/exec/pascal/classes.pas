// Host classes of the library: TStringList and TList with their members, with, type tests.
var list: TStringList; l: TList; o: TObject; i: Integer; s: String;
begin
  list := TStringList.Create;
  list.Add('b');
  list.Add('a');
  ShowMessage(IntToStr(list.Count) + list[0] + list.Strings[1]);  // expect: 2ba
  list[0] := 'c';
  with list do
  begin
    Add('d');
    ShowMessage(IntToStr(Count) + IntToStr(IndexOf('D')));  // expect: 32
  end;
  ShowMessage(list.CommaText);            // expect: c,a,d
  list.Text := 'x' + Chr(13) + Chr(10) + 'y';
  for i := 0 to list.Count - 1 do s := s + list[i];
  ShowMessage(s);                         // expect: xy
  if list is TStrings then ShowMessage('is TStrings');  // expect: is TStrings
  if not (list is TList) then ShowMessage('not a TList');  // expect: not a TList
  ShowMessage(list.ClassName);            // expect: TStringList
  l := TList.Create;
  l.Add(list);
  o := l[0];
  if o = list then ShowMessage('same object');  // expect: same object
  list.Free;
  l.Free;
  l := nil;
  if l = nil then ShowMessage('nil');     // expect: nil
  ShowMessage(list[0]);
end.
// expect runtime error: Access violation: the object was freed
