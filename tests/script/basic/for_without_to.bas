' expect error: 2:11: 'TO' expected
For i = 1 Step 2
Next
