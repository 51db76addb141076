begin x := 1 end.
