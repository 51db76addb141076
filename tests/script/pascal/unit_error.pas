// expect error: broken.inc: 3:3: ';' expected
uses 'broken.inc';
begin
  case x of 1: a; end
end.
