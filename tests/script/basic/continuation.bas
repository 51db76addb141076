a = 1 + _
    2 ' comment after code
rem a whole-line comment
remark = 3
/\ block
comment /\ b = a
