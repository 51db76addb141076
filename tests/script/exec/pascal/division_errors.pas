// Division by zero: the message of each kind, caught with its class name.
var x: Variant;
begin
  try x := 7 / 0; except ShowMessage(ExceptionClassName + ': ' + ExceptionMessage); end;
  // expect: EZeroDivide: Floating point division by zero
  try x := 7 div 0; except ShowMessage(ExceptionClassName + ': ' + ExceptionMessage); end;
  // expect: EDivByZero: Division by zero
  try x := StrToInt('z'); except ShowMessage(ExceptionClassName); end;
  // expect: EConvertError
  try RaiseException('boom'); except ShowMessage(ExceptionClassName + ': ' + ExceptionMessage); end;
  // expect: Exception: boom
  x := 1 mod 0;
end.
// expect runtime error: Division by zero
