' expect error: 4:1: 'WEND' expected
While a
  a = a - 1
