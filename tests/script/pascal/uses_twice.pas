uses 'unit_a.inc', 'unit_a.inc', 'unit_b.inc';
begin
  Shared;
end.
