// expect error: 5:1: ';' expected
begin
  while a do
    b := b + 1
