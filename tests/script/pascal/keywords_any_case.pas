BEGIN If A Then B := 1 ELSE b := 2 END.
