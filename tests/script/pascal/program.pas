program Invoice;
uses 'unit_a.inc';

{ A report script using every statement kind of the language. }
const
  MaxRows = 100;
  Title = 'Счёт'#13#10'№ ';
  Mask = $FF;

var
  Total, Count: Integer;
  Rate: Extended = 1.5e-2;
  Names: array[0..9] of String;
  Grid: array[1..3, 1..MaxRows] of Variant;
  Flags: array of Boolean;
  Memo: TfrxMemoView;

procedure Clear(var A: Integer; const B: String; C, D: Integer);
begin
  A := 0;
  Exit
end;

function Percent(Value: Extended; Base: Extended): Extended;
var
  Ratio: Extended;
begin
  if Base = 0 then
    Result := 0
  else
  begin
    Ratio := Value / Base;
    Result := Ratio * 100
  end;
end;

function Words(N: Integer): String;
begin
  case N mod 10 of
    1: Result := 'one';
    2..4: Result := 'few';
    5, 6, 7: Result := 'many'
  else
    Result := ''
  end;
end;

procedure Walk;
var
  I, J: Integer;
begin
  for I := 0 to 9 do
  begin
    if I = 3 then Continue;
    if I > 7 then Break;
    Names[I] := IntToStr(I) + ' ' + Words(I)
  end;
  for J := MaxRows downto 1 do
    Grid[1, J] := J * 2;
  I := 0;
  while (I < 10) and not Flags[I] do
    Inc(I);
  repeat
    J := J + 1;
  until (J >= 10) or (J in [12, 14..20]);
end;

begin
  Total := 0;
  Count := <Orders."Count">;
  Clear(Total, 'x', 1, 2);
  Memo := MasterData1.FindObject('Memo' + IntToStr(Count));
  with Memo, Memo.Font do
  begin
    Text := Title + Format('%d', [Total]);
    Color := clRed
  end;
  try
    Total := Total div 2 + Count mod 3 - (Mask and $0F) shl 1 shr 1;
    Total := -Total xor 7;
    Rate := Percent(Total, Count) * Rate
  finally
    Walk
  end;
  try
    Memo.Visible := Memo is TfrxMemoView;
    Memo.Frame.Typ := [ftLeft, ftRight]
  except
    ShowMessage('failed: ' + ExceptionMessage)
  end;
  if (Total <> 0) and (Count >= 1) or (Total <= -1) then
    Set('Total', Total)
  else if Total < 0 then
    Report.Variables['Total'] := @Walk;
  Names[0] := Names[1]; ; ;
end.
