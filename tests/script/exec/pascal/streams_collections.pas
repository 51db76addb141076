// Streams, collections and string lists with files; freed file streams are closed.
var ms, copy: TMemoryStream; fs: TFileStream; list: TStringList; c: TCollection;
    item: TCollectionItem; path: String;
begin
  path := '/tmp/zavrik_script_stream_test.txt';
  list := TStringList.Create;
  list.Add('alpha');
  list.Add('бета');
  ms := TMemoryStream.Create;
  list.SaveToStream(ms);
  ShowMessage(IntToStr(ms.Size) + ' ' + IntToStr(ms.Position));  // expect: 17 17
  ms.Position := 0;
  copy := TMemoryStream.Create;
  copy.CopyFrom(ms, 0);
  copy.SaveToFile(path);
  fs := TFileStream.Create(path, fmOpenRead);
  ShowMessage(IntToStr(fs.Size));                     // expect: 17
  list.Clear;
  list.LoadFromStream(fs);
  fs.Free;
  ShowMessage(list[1] + IntToStr(list.Count));        // expect: бета2
  list.LoadFromFile(path);
  ShowMessage(list.CommaText);                        // expect: alpha,бета
  c := TCollection.Create;
  c.Add;
  item := c.Add;
  ShowMessage(IntToStr(c.Count) + IntToStr(item.Index));  // expect: 21
  c.Delete(0);
  ShowMessage(IntToStr(item.Index) + IntToStr(c[0].Index));  // expect: 00
  ShowMessage(IntToStr(fs.Size));
end.
// expect runtime error: Access violation: the object was freed
