// Priorities, associativity and the value rules of the operators.
var v: Variant; calls: Integer; a, b: Boolean;
function F: Boolean;
begin
  calls := calls + 1;
  Result := True;
end;
begin
  ShowMessage(IntToStr(2 + 3 * 4));       // expect: 14
  ShowMessage(IntToStr((2 + 3) * 4));     // expect: 20
  ShowMessage(IntToStr(10 - 4 - 3));      // expect: 3
  ShowMessage(IntToStr(7 div 2));         // expect: 3
  ShowMessage(IntToStr(7 mod 2));         // expect: 1
  ShowMessage(VarToStr(7 / 2));           // expect: 3,5
  ShowMessage('a' + 'b');                 // expect: ab
  ShowMessage(VarToStr(2147483647 + 1));  // expect: 2147483648
  v := '1';
  ShowMessage(VarToStr(v + 2));           // expect: 3
  v := '10';
  if '10' < '9' then ShowMessage('text order');  // expect: text order
  if not (v < 9) then ShowMessage('numeric order');  // expect: numeric order
  if Null = Null then ShowMessage('null equals null');  // expect: null equals null
  if not (Null = 0) then ShowMessage('null is not zero');  // expect: null is not zero
  if Null < 1 then ShowMessage('null is smallest');  // expect: null is smallest
  ShowMessage(VarToStr(Null + 1) + '|');  // expect: |
  if not (Null and False) then ShowMessage('null and false');  // expect: null and false
  a := False;
  b := a and F();
  ShowMessage(IntToStr(calls));           // expect: 0
  b := True or F();
  ShowMessage(IntToStr(calls));           // expect: 0
  b := True and F();
  ShowMessage(IntToStr(calls));           // expect: 1
  ShowMessage(IntToStr(6 and 3));         // expect: 2
  ShowMessage(IntToStr(6 or 3) + IntToStr(6 xor 3) + IntToStr(1 shl 4));  // expect: 7516
  if 4 in [1, 3..5] then ShowMessage('4 in');  // expect: 4 in
  if not (2 in [1, 3..5]) then ShowMessage('2 not in');  // expect: 2 not in
  ShowMessage(IntToStr(-2 * 3 + 1));      // expect: -5
  if not (1 > 2) and (2 >= 2) and (3 <> 4) then ShowMessage('relations');  // expect: relations
end.
