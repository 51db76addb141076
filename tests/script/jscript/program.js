import "unit_e.inc";
// A report script using every statement kind of the language.
var Total, Count = 0, Rate = 1.5e-2;
var Names[10], Grid[3, 100];

function Clear(&a, b, c)
{
  a = 0;
  return;
}

function Percent(value, base)
{
  var ratio;
  if (base == 0)
    return 0;
  else
  {
    ratio = value / base;
    return ratio * 100;
  }
}

function Words(n)
{
  switch (n % 10)
  {
    case 1: return "one";
    case 2..4: return "few";
    case 5, 6, 7: { return "many"; }
    default: return "";
  }
}

function Walk()
{
  var i, j;
  for (i = 0; i < 10; i++)
  {
    if (i == 3) continue;
    if (i > 7) break;
    Names[i] = IntToStr(i) + " " + Words(i);
  }
  for (var k = 100; k >= 1; k--)
    Grid[1, k] = k * 2;
  i = 0;
  while ((i < 10) && !Flags[i])
    Inc(i);
  do
  {
    j += 1;
  } while ((j < 10) || (j in [12, 14..20]));
}

Total = 0;
Count = <Orders."Count">;
Clear(Total, "x\ty\x41", 1);
memo = MasterData1.FindObject("Memo" + IntToStr(Count));
with (memo)
{
  Text = "Счёт\r\n" + Format("%d", [Total]);
  Color = clRed;
}
try
{
  Total = Total / 2 + Count % 3 - (0x0F && 5) << 1 >> 1;
  Total = -Total ^ 7;
  Rate = Percent(Total, Count) * Rate;
}
finally
{
  Walk();
}
try
{
  memo.Visible = memo is TfrxMemoView;
  memo = new TfrxMemoView(nil);
  delete memo;
}
except
{
  ShowMessage("failed: " + ExceptionMessage);
}
if ((Total != 0) && (Count >= 1) || (Total <= -1))
  Set("Total", Total);
else if (Total < 0)
  Report.Variables["Total"] = &Walk;
