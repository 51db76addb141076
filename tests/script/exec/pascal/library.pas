// The standard library: conversions, strings, dates, maths, formatting.
var s: String; y, m, d: Integer; v: Variant;
begin
  ShowMessage(IntToStr(12) + ' ' + BoolToStr(True));              // expect: 12 -1
  if not StrToBool('false') then ShowMessage('false');             // expect: false
  ShowMessage(Copy('abcdef', 2, 3) + IntToStr(Pos('c', 'abc')) + IntToStr(Pos('x', 'abc')));
  // expect: bcd30
  ShowMessage(NameCase('иВАН петров'));                            // expect: Иван Петров
  ShowMessage(Uppercase('abcя') + Lowercase('ABCЯ'));              // expect: ABCЯabcя
  ShowMessage(IntToStr(Round(2.5)) + IntToStr(Round(3.5)) + IntToStr(Trunc(-1.7)));
  // expect: 24-1
  ShowMessage(FloatToStr(Int(2.7)) + ' ' + FloatToStr(Frac(2.5)));  // expect: 2 0,5
  ShowMessage(IntToStr(DaysInMonth(2024, 2)) + IntToStr(DaysInMonth(2023, 2)));  // expect: 2928
  ShowMessage(IntToStr(DayOfWeek(EncodeDate(2024, 1, 7))));         // expect: 1
  DecodeDate(EncodeDate(2023, 11, 5), y, m, d);
  ShowMessage(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));  // expect: 2023-11-5
  ShowMessage(DateToStr(EncodeDate(2024, 3, 1)));                   // expect: 01.03.2024
  ShowMessage(FormatDateTime('yyyy/mm/dd', EncodeDate(2024, 3, 1)));  // expect: 2024.03.01
  ShowMessage(Format('%d items, %s, %.2f', [3, 'ok', 1.5]));        // expect: 3 items, ok, 1,50
  ShowMessage(FormatFloat('0.00', 1234.5));                         // expect: 1234,50
  ShowMessage(IntToStr(Length([1, 2, 3])) + IntToStr(Length('')) + IntToStr(Length('abc')));
  // expect: 303
  s := 'abcdef';
  Delete(s, 2, 2);
  Insert('XY', s, 2);
  ShowMessage(s);                                                   // expect: aXYdef
  ShowMessage(Trim('  a b  ') + '|' + Chr(65) + IntToStr(Ord('a')));  // expect: a b|A97
  if CompareText('abc', 'ABC') = 0 then ShowMessage('same text');   // expect: same text
  if ValidInt('12') and not ValidInt('1x') and ValidFloat('1,5') then ShowMessage('valid');
  // expect: valid
  ShowMessage(ExtractFilePath('/tmp/dir/file.txt'));                // expect: /tmp/dir/
  ShowMessage(IntToStr(VarType(1)) + ' ' + IntToStr(VarType('a')));  // expect: 3 256
  v := VarArrayCreate([0, 2], varInteger);
  v[1] := 7;
  ShowMessage(IntToStr(v[1]) + IntToStr(Length(v)));                // expect: 73
  ShowMessage(FloatToStr(Sqrt(16)) + ' ' + FloatToStr(Abs(-2)));    // expect: 4 2
  ShowMessage(IntToStr(StrToInt('$FF')) + ' ' + FloatToStr(StrToFloat('2,5')));  // expect: 255 2,5
  s := 'x';
  SetLength(s, 3);
  ShowMessage('[' + s + ']');                                       // expect: [x  ]
  try SetLength(s, 2000000000); except ShowMessage(ExceptionMessage); end;  // expect: Out of memory
  try ShowMessage(CreateOleObject('Word.Application')); except ShowMessage(ExceptionMessage); end;
  // expect: CreateOleObject: OLE automation is not available (class 'Word.Application')
end.
