// Indexing strings and declared arrays; bounds are checked.
var s: String; a: array[1..3] of Integer; m: array[0..1, 0..2] of String; i: Integer;
begin
  s := 'abc';
  ShowMessage(s[2]);                      // expect: b
  s[2] := 'X';
  ShowMessage(s);                         // expect: aXc
  for i := 1 to 3 do a[i] := i * i;
  ShowMessage(IntToStr(a[1] + a[2] + a[3]));  // expect: 14
  m[1, 2] := 'corner';
  ShowMessage(m[1, 2] + IntToStr(Length(a)));  // expect: corner3
  try
    a[4] := 1;
  except
    ShowMessage(ExceptionMessage);        // expect: Index out of bounds
  end;
  ShowMessage(s[0]);
end.
// expect runtime error: Index out of bounds
