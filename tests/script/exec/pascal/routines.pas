// Recursion, by-reference and default parameters, routines used before their text.
var a, b: Integer; s: String;
function UsesLater(n: Integer): Integer;
begin
  Result := Later(n);
end;
function Later(n: Integer): Integer;
begin
  Result := n * 2;
end;
function Fact(n: Integer): Integer;
begin
  if n = 0 then Result := 1 else Result := n * Fact(n - 1);
end;
procedure Swap(var x, y: Integer);
var t: Integer;
begin
  t := x; x := y; y := t;
end;
function Add(x: Integer; y: Integer = 10): Integer;
begin
  Result := x + y;
end;
function Fib(n: Integer): Integer;
begin
  if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - 2);
end;
procedure Append(var t: String; const u: String);
begin
  t := t + u;
end;
begin
  ShowMessage(IntToStr(Fact(5)));          // expect: 120
  a := 1; b := 2;
  Swap(a, b);
  ShowMessage(IntToStr(a) + IntToStr(b));  // expect: 21
  ShowMessage(IntToStr(Add(1)) + ' ' + IntToStr(Add(1, 2)));  // expect: 11 3
  ShowMessage(IntToStr(UsesLater(4)));         // expect: 8
  ShowMessage(IntToStr(Fib(15)));          // expect: 610
  Append(s, 'x'); Append(s, 'y');
  ShowMessage(s);                          // expect: xy
  Inc(a); Inc(a, 5); Dec(b);
  ShowMessage(IntToStr(a) + ' ' + IntToStr(b));  // expect: 8 0
end.
