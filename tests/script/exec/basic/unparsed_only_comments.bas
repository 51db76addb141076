' Blank lines and comments after the last statement are no unparsed text.
ShowMessage("only")   ' expect: only

' a closing comment
rem and another

