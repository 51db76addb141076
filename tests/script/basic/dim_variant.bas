Dim x
