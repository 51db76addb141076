// A case statement does not take a break: it still ends the loop around it.
var i, n: Integer;
begin
  n := 0;
  for i := 1 to 5 do
  begin
    case i of
      3: break;
    else
      n := n + 1;
    end;
  end;
  ShowMessage(IntToStr(i) + ' ' + IntToStr(n));   // expect: 3 2
end.
