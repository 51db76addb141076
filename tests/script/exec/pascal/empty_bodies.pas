// A missing then, else or loop body is an empty statement.
var i: Integer;
begin
  if False then else ShowMessage('else');  // expect: else
  for i := 1 to 3 do ;
  while i < 5 do i := i + 1;
  if i = 5 then ;
  ShowMessage(IntToStr(i));  // expect: 5
end.
