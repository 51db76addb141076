' expect error: 2:8: 'CASE' expected
Select x
  Case 1: y = 1
End Select
