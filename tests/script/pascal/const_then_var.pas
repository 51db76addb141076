const a = 1; s = 'x';
var b: Integer;
begin end.
