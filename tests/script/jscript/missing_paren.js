// expect error: 2:12: ')' expected
if (a == b x = 1;
