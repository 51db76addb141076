' REM in capitals is no comment (the comment word is lower case).
ShowMessage("before")
Rem this line
ShowMessage("after")
' expect error: 3:1: End of line expected
