#language BasicScript
Dim x As Integer = 5
x = x + 1
