// expect error: 2:7: '(' expected
while x < 1 { x++; }
