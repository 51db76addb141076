' A Finally part runs whole when Break or Continue is pending.
Dim i
For i = 1 To 3
  Try
    If i = 2 Then Break
    ShowMessage("pass " & i)
  Finally
    ShowMessage("A")
    ShowMessage("B")
  End Try
Next
' expect: pass 1
' expect: A
' expect: B
' expect: A
' expect: B
ShowMessage("i=" & i)   ' expect: i=2
For i = 1 To 2
  Try
    Continue
  Finally
    ShowMessage("C")
    ShowMessage("D")
  End Try
Next
' expect: C
' expect: D
' expect: C
' expect: D
