// Null converts to nothing: assigning it to an Integer variable fails.
var i: Integer; v: Variant;
begin
  v := Null;
  i := v;
end.
// expect runtime error: Could not convert variant of type (Null) into type (Integer)
