Imports "unit_d.inc"
' A report script using every statement kind of the language.
Dim Total As Integer, Count = 0
Dim Rate As Decimal = 1.5e-2
Dim Names[10], Grid[3, 100]

Sub Clear(ByRef A, ByVal B As String, C)
  A = 0
  Exit
End Sub

Function Percent(Value, Base As Decimal) As Decimal
  Dim Ratio
  If Base = 0 Then
    Return 0
  ElseIf Base < 0 Then
    Return -1
  Else
    Ratio = Value / Base
    Return Ratio * 100
  End If
End Function

Function Words(N)
  Select Case N Mod 10
    Case 1: Return "one"
    Case 2..4: Return "few"
    Case 5, 6, 7:
      Return "many"
    Case Else:
      Return ""
  End Select
End Function

Sub Walk
  Dim I, J
  For I = 0 To 9
    If I = 3 Then Continue
    If I > 7 Then Break
    Names[I] = IntToStr(I) & " " & Words(I)
  Next
  For J = 100 To 1 Step -1
    Grid[1, J] = J * 2 \ 1
  Next
  I = 0
  While (I < 10) And Not Flags[I]
    I += 1
  Wend
  Do
    J++
  Loop Until (J >= 10) Or (J In [12, 14..20])
  Do
    J--
  Loop While J > 0
End Sub

Total = 0 : Count = <Orders."Count">
Clear(Total, "x", 1)
Set Memo = MasterData1.FindObject("Memo" + IntToStr(Count))
With Memo
  Text = "Счёт" & Format("%d", [Total])
  Color = clRed
End With
Try
  Total = Total \ 2 + Count Mod 3 - (0x0F And 5)
  Total = -Total Xor 7
  Rate = Percent(Total, Count) * Rate
Finally
  Walk
End Try
Try
  Memo.Visible = Memo Is TfrxMemoView
  Memo = New TfrxMemoView(Nothing)
  Delete Memo
Catch
  ShowMessage("failed: " + ExceptionMessage)
End Try
If (Total <> 0) And (Count >= 1) Or (Total <= -1) Then SetValue("Total", Total)
If Total < 0 Then
  Report.Variables["Total"] = AddressOf Walk
Else
  Total = 1
End If
