// expect error: 2:11: ':' expected
function F; begin end;
begin end.
