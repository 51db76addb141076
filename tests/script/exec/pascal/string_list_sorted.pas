// Sorted := True orders the strings already in the list (with their objects); IndexOf follows.
var list: TStringList;
begin
  list := TStringList.Create;
  list.Add('pear');
  list.Add('Apple');
  list.Add('fig');
  list.Sorted := True;
  ShowMessage(list.CommaText);                 // expect: Apple,fig,pear
  ShowMessage(IntToStr(list.IndexOf('pear'))); // expect: 2
  list.Add('banana');
  ShowMessage(list.CommaText);                 // expect: Apple,banana,fig,pear
  list.Text := 'c' + #13#10 + 'a' + #13#10 + 'b';
  ShowMessage(list.CommaText);                 // expect: a,b,c
  try
    list.Insert(0, 'z');
  except
    ShowMessage(ExceptionMessage);             // expect: Operation not allowed on sorted list
  end;
  list.Sorted := False;
  list.Insert(0, 'z');
  ShowMessage(list.CommaText);                 // expect: z,a,b,c
  list.Free;
end.
