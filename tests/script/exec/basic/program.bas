' BasicScript: undeclared variables, & concatenation, stepping for, select case, subs, functions.
Dim total As Integer, text
Function Twice(n)
  Return n * 2
End Function
Sub Show(s)
  ShowMessage(s)
End Sub
Sub Bump(ByRef n)
  n = n + 1
End Sub
Show("n=" & 5)                       ' expect: n=5
For i = 1 To 10 Step 3
  total = total + i
Next
Show("" & total & " " & i)           ' expect: 22 10
text = ""
For k = 3 To 1 Step -1
  text = text & k
Next
Show(text)                           ' expect: 321
Select Case Twice(2)
  Case 1, 2:
    Show("small")
  Case 3, 4:
    Show("four")                     ' expect: four
  Case Else:
    Show("big")
End Select
x = 0
Do
  x = x + 1
Loop Until x >= 3
Show(x)                              ' expect: 3
Do
  x = x - 1
Loop While x > 0
Show(x)                              ' expect: 0
While x < 5
  x = x + 2
Wend
Show(x)                              ' expect: 6
If x > 5 Then
  Show("big x")                      ' expect: big x
ElseIf x > 2 Then
  Show("medium")
Else
  Show("small")
End If
Bump(x)
Show(x)                              ' expect: 7
Try
  y = 1 \ 0
Catch
  Show(ExceptionMessage)             ' expect: Division by zero
End Try
Show("" & 7 \ 2 & "," & 7 Mod 2)     ' expect: 3,1
' "&" after a number adds: the text is not a number.
Show(1 & "x")
' expect runtime error: Could not convert variant of type (UnicodeString) into type (Double)
