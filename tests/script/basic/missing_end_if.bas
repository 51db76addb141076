' expect error: 4:1: 'END' expected
If a Then
  b = 1
