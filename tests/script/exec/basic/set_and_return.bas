' Set assigns like a plain assignment; a function's Return ends it.
Dim s
Set s = New TStringList
s.Add("one")
ShowMessage(s.Strings(0))
' expect: one
Function F(x)
  Return x + 1
  ShowMessage("not reached")
End Function
ShowMessage(F(1))
' expect: 2
