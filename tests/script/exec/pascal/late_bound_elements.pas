// An element of a Variant array followed by a member or an index: bound when first run, by the
// element's value then.
var a: array[0..1] of Variant; grid: array[0..1, 0..1] of Variant; list: TStringList;
begin
  list := TStringList.Create;
  list.Add('x');
  a[0] := list;
  ShowMessage(IntToStr(a[0].Count));             // expect: 1
  a[0].Add('y');
  ShowMessage(a[0].Strings[1]);                  // expect: y
  a[1] := 'xyz';
  ShowMessage(a[1][2]);                          // expect: y
  a[1][2] := 'Q';
  ShowMessage(a[1]);                             // expect: xQz
  grid[0, 1] := VarArrayCreate([0, 1], 12);
  grid[0, 1][1] := 'deep';
  ShowMessage(grid[0, 1][1]);                    // expect: deep
  list.Free;
end.
