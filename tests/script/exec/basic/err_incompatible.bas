Dim a As Integer
a = "x"
' expect error: 2:5: Incompatible types: 'Integer', 'String'
