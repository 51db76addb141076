If a Then
b = 1
End If
