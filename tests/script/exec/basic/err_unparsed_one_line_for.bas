' A For loop needs its lines: on one line the rest of the program must not vanish.
Dim i
For i = 1 To 3: ShowMessage(i): Next
ShowMessage("after")
' expect error: 3:1: End of line expected
