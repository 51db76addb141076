' "rem" starts a comment only as a whole word: names beginning with it stay names.
remark = 5
ShowMessage(VarToStr(remark))   ' expect: 5
rem a comment line
ShowMessage("after") rem a comment after code
' expect: after
remove = remark + 1
ShowMessage(VarToStr(remove))   ' expect: 6
