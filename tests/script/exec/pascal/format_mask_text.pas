// Values laid into edit masks: case conversion, saved and unsaved literals, quoted mask characters.
begin
  ShowMessage(FormatMaskText('(000) 000-00-00;0;_', '4951234567'));  // expect: (495) 123-45-67
  ShowMessage(FormatMaskText('LL-00;1;*', 'ab-12'));                 // expect: ab-12
  ShowMessage(FormatMaskText('LL-00;0;*', 'ab12'));                  // expect: ab-12
  ShowMessage(FormatMaskText('>LLL;0;_', 'abc'));                    // expect: ABC
  ShowMessage(FormatMaskText('>L<lll;0', 'мОСКВА'));                 // expect: Моск
  ShowMessage(FormatMaskText('\L00', '12'));                         // expect: L12
  ShowMessage(FormatMaskText('!99/99/0000;1;_', '12/03/2024'));      // expect: 12/03/2024
end.
