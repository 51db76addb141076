// Loops: counts, the loop variable afterwards, break and continue, break and exit in routines.
var i, n: Integer; s: String;
procedure BreakInside;
var k: Integer;
begin
  for k := 1 to 10 do
    if k = 3 then break;
  ShowMessage('loop ended at ' + IntToStr(k));
end;
procedure ExitEarly;
begin
  ShowMessage('in');
  exit;
  ShowMessage('not reached');
end;
begin
  for i := 3 downto 1 do s := s + IntToStr(i);
  ShowMessage(s);                          // expect: 321
  n := 0;
  for i := 1 to 0 do n := n + 1;
  ShowMessage(IntToStr(n));                // expect: 0
  for i := 1 to 3 do n := n + 1;
  ShowMessage(IntToStr(i) + ' ' + IntToStr(n));  // expect: 3 3
  for i := 1 to 3 do i := 10;
  ShowMessage(IntToStr(i));                // expect: 10
  BreakInside;                             // expect: loop ended at 3
  for i := 1 to 2 do BreakInside;          // expect: loop ended at 3
                                           // expect: loop ended at 3
  ExitEarly;                               // expect: in
  ShowMessage('caller continues');         // expect: caller continues
  s := '';
  i := 0;
  while i < 6 do
  begin
    i := i + 1;
    if i mod 2 = 0 then continue;
    s := s + IntToStr(i);
  end;
  ShowMessage(s);                          // expect: 135
  repeat i := i - 1; if i = 2 then break; until i = 0;
  ShowMessage(IntToStr(i));                // expect: 2
  while True do break;
  ShowMessage('after while');              // expect: after while
end.
