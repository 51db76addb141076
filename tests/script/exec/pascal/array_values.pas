// Arrays are values: assignment, by-value parameters and results copy; var parameters share.
var a, b: array[1..3] of Integer;
    v, w, r1, r2: Variant;
    i: Integer;
procedure ByValue(x: Variant);
begin
  x[1] := 100;
  ShowMessage('inside ' + VarToStr(x[1]));
end;
procedure ByRef(var x: Variant);
begin
  x[2] := 200;
end;
function Filled(n: Integer): Variant;
var loc: array[1..3] of Integer;
begin
  loc[1] := n;
  Result := loc;
end;
begin
  for i := 1 to 3 do a[i] := i;
  b := a;
  b[1] := 9;
  ShowMessage(IntToStr(a[1]) + ' ' + IntToStr(b[1]));   // expect: 1 9
  a[2] := 7;
  ShowMessage(IntToStr(a[2]) + ' ' + IntToStr(b[2]));   // expect: 7 2
  v := VarArrayCreate([0, 2], varVariant);
  v[1] := 'one';
  w := v;
  w[1] := 'uno';
  ShowMessage(v[1] + ' ' + w[1]);                        // expect: one uno
  ByValue(v);                                            // expect: inside 100
  ShowMessage(VarToStr(v[1]));                           // expect: one
  ByRef(v);
  ShowMessage(VarToStr(v[2]));                           // expect: 200
  ShowMessage('w2=' + VarToStr(w[2]));                   // expect: w2=
  r1 := Filled(5);
  r2 := Filled(6);
  ShowMessage(VarToStr(r1[1]) + ' ' + VarToStr(r2[1]));  // expect: 5 6
  b := a;
  for i := 1 to 3 do b[i] := b[i] * 10;
  ShowMessage(IntToStr(a[3]) + ' ' + IntToStr(b[3]));   // expect: 3 30
end.
