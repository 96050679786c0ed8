{ Reference converter: text form <-> binary form resource with Free Pascal's classes unit. }
program fpc_formconv;
{$mode objfpc}{$H+}
uses Classes, SysUtils;
var
  src, dst: TFileStream;
begin
  if ParamCount <> 3 then
  begin
    WriteLn(StdErr, 'usage: fpc_formconv tobin|totext IN OUT');
    Halt(2);
  end;
  src := TFileStream.Create(ParamStr(2), fmOpenRead);
  dst := TFileStream.Create(ParamStr(3), fmCreate);
  try
    if ParamStr(1) = 'tobin' then
      ObjectTextToBinary(src, dst)
    else
      ObjectBinaryToText(src, dst);
  finally
    dst.Free;
    src.Free;
  end;
end.
