var o: TObject;
begin
  o := TObject.Create;
  ShowMessage(o[1]);
end.
// expect error: 4:17: Class TObject does not have a default property
