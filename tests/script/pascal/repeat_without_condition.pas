// expect error: 2:22: Expression expected
begin repeat x until end.
