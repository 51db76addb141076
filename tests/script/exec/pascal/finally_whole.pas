// A finally part runs whole when break, continue or exit is pending, and the transfer holds after it.
var i, n: Integer;
procedure Leave;
begin
  try
    exit;
  finally
    ShowMessage('E1');
    ShowMessage('E2');
  end;
  ShowMessage('not reached');
end;
begin
  for i := 1 to 3 do
    try
      if i = 2 then break;
      ShowMessage('pass ' + IntToStr(i));
    finally
      ShowMessage('A');
      ShowMessage('B');
    end;
  // expect: pass 1
  // expect: A
  // expect: B
  // expect: A
  // expect: B
  ShowMessage('i=' + IntToStr(i));   // expect: i=2
  n := 0;
  while n < 2 do
  begin
    n := n + 1;
    try
      continue;
    finally
      ShowMessage('C' + IntToStr(n));
      ShowMessage('D' + IntToStr(n));
    end;
    ShowMessage('not reached');
  end;
  // expect: C1
  // expect: D1
  // expect: C2
  // expect: D2
  Leave;
  // expect: E1
  // expect: E2
  for i := 1 to 3 do
    try
      ShowMessage('loop ' + IntToStr(i));
    finally
      if i = 2 then break;
    end;
  // expect: loop 1
  // expect: loop 2
  ShowMessage('end');   // expect: end
end.
