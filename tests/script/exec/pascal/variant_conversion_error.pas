// Text that is not a number fails in arithmetic with the conversion error.
var v: Variant;
begin
  v := 'x';
  ShowMessage('before');  // expect: before
  v := v + 2;
  ShowMessage('not reached');
end.
// expect runtime error: Could not convert variant of type (UnicodeString) into type (Double)
