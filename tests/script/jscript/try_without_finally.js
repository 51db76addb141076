// expect error: 3:1: 'FINALLY' or 'EXCEPT' expected
try { x = 1; }
y = 2;
