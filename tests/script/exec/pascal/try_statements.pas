// try/except continues after the error; try/finally runs the final part and then leaves.
var x, y, z: Integer; log: String;
procedure Leave;
begin
  try
    exit;
  finally
    z := 1;
  end;
  z := 2;
end;
procedure Fails;
begin
  try
    RaiseException('inner');
  finally
    log := log + 'finally ';
  end;
end;
begin
  try
    x := 1 div 0;
    y := 5;
  except
    ShowMessage(ExceptionMessage);         // expect: Division by zero
  end;
  ShowMessage(IntToStr(y));                // expect: 0
  Leave;
  ShowMessage(IntToStr(z));                // expect: 1
  try
    Fails;
  except
    log := log + ExceptionMessage;
  end;
  ShowMessage(log);                        // expect: finally inner
end.
