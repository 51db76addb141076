' A Select Case does not take a Break: it still ends the loop around it.
Dim i, n
n = 0
For i = 1 To 5
  Select Case i
    Case 3:
      Break
    Case Else:
      n = n + 1
  End Select
Next
ShowMessage(IntToStr(i) & " " & IntToStr(n))   ' expect: 3 2
