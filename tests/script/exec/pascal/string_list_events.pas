// TStringList offers OnChanging and OnChange to scripts.
var list: TStringList;
    log: String;
procedure Changing(Sender: TObject);
begin
  log := log + '<';
end;
procedure Changed(Sender: TObject);
begin
  log := log + IntToStr(TStringList(Sender).Count) + '>';
end;
begin
  list := TStringList.Create;
  list.OnChanging := 'Changing';
  list.OnChange := 'Changed';
  list.Add('a');
  list.Add('b');
  list[0] := 'c';
  list.Delete(0);
  ShowMessage(log);              // expect: <1><2><2><1>
  list.OnChange := '';
  list.Clear;
  ShowMessage(log);              // expect: <1><2><2><1><
  list.Free;
end.
