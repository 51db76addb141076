begin
  case x of
    1: a;
    2, 4..6: b;
  end;
  case y of 'a': ; else z := 0 end
end.
