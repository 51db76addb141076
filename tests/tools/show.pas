var s: String;
begin
  s := 'Привет';
  ShowMessage(s);
  ShowMessage(IntToStr(Length(s)));
end.