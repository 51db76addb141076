' An End If without its If stops the parse with an error.
ShowMessage("before")
End If
ShowMessage("after")
' expect error: 3:1: End of line expected
