// Unbounded recursion of a script routine ends in an error, not in a crash of the host.
function Down(n: Integer): Integer;
begin
  Result := Down(n + 1);
end;
begin
  try
    Down(0);
  except
    ShowMessage(ExceptionMessage);  // expect: Too many nested calls (stack overflow) in 'Down'
  end;
  ShowMessage('still running');     // expect: still running
end.
