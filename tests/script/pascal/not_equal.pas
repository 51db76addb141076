begin
  x := a <> b;
  y := (a >= b) and not (c <= d) or (e in [1, 3..5]);
  z := -a * b div c mod 2 shl 1 + $FF - 1.5e3
end.
