begin if x then end.
