' expect error: 3:5: 'SUB' expected
Sub Go
End Function
