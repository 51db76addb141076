// expect error: 2:13: 'WHILE' expected
do { x++; } until (x > 3);
