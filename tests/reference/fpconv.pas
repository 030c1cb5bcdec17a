{ Free Pascal's own form-file converters behind a command line, so that the tests and the
  benchmarks can hold our converters against an independent implementation.

    fpconv t2b IN OUT                 text form file to binary
    fpconv b2t IN OUT                 binary form file to text
    fpconv bench t2b|b2t IN REPEATS   converts IN REPEATS times in memory and prints
                                      "MBps <input megabytes per second>" (1 MB = 1e6 bytes)

  Any exception: its message on stderr, exit code 1. The output file is only written after a
  conversion succeeded, so a failed run never leaves a half-written file behind. }
program fpconv;

{$mode objfpc}{$H+}

uses
  {$ifdef linux}Linux,{$endif}
  Classes, SysUtils;

type
  TConvertProc = procedure(Input, Output: TStream);

procedure Usage;
begin
  WriteLn(StdErr, 'usage: fpconv t2b|b2t IN OUT');
  WriteLn(StdErr, '       fpconv bench t2b|b2t IN REPEATS');
  Halt(2);
end;

function ConverterFor(const Direction: string): TConvertProc;
begin
  if Direction = 't2b' then
    Result := @ObjectTextToBinary
  else if Direction = 'b2t' then
    Result := @ObjectBinaryToText
  else
  begin
    Result := nil;
    Usage;
  end;
end;

{ Seconds on a monotonic clock; GetTickCount64's milliseconds are too coarse for small files. }
function NowSeconds: Double;
{$ifdef linux}
type
  { The kernel's clock value: seconds and nanoseconds, each a C long. }
  TClockValue = record
    Seconds, Nanoseconds: PtrInt;
  end;
var
  Clock: TClockValue;
begin
  if clock_gettime(CLOCK_MONOTONIC, @Clock) = 0 then
    Exit(Clock.Seconds + Clock.Nanoseconds / 1e9);
  Result := GetTickCount64 / 1000.0;
end;
{$else}
begin
  Result := GetTickCount64 / 1000.0;
end;
{$endif}

procedure Convert(Proc: TConvertProc; const InName, OutName: string);
var
  Input, Output: TMemoryStream;
begin
  Input := TMemoryStream.Create;
  Output := TMemoryStream.Create;
  try
    Input.LoadFromFile(InName);
    Proc(Input, Output);
    Output.SaveToFile(OutName);
  finally
    Output.Free;
    Input.Free;
  end;
end;

procedure Bench(Proc: TConvertProc; const InName: string; Repeats: Integer);
var
  Input, Output: TMemoryStream;
  I: Integer;
  Start, Elapsed: Double;
  Fmt: TFormatSettings;
begin
  if Repeats < 1 then
    raise EConvertError.Create('REPEATS must be at least 1');
  Input := TMemoryStream.Create;
  Output := TMemoryStream.Create;
  try
    Input.LoadFromFile(InName);
    Start := NowSeconds;
    for I := 1 to Repeats do
    begin
      Input.Position := 0;
      Output.Clear;
      Proc(Input, Output);
    end;
    Elapsed := NowSeconds - Start;
    if Elapsed <= 0 then
      Elapsed := 1e-9;
    Fmt := DefaultFormatSettings;
    Fmt.DecimalSeparator := '.';
    WriteLn(Format('MBps %.3f', [Input.Size / 1e6 * Repeats / Elapsed], Fmt));
  finally
    Output.Free;
    Input.Free;
  end;
end;

begin
  try
    if (ParamCount = 3) and (ParamStr(1) <> 'bench') then
      Convert(ConverterFor(ParamStr(1)), ParamStr(2), ParamStr(3))
    else if (ParamCount = 4) and (ParamStr(1) = 'bench') then
      Bench(ConverterFor(ParamStr(2)), ParamStr(3), StrToInt(ParamStr(4)))
    else
      Usage;
  except
    on E: Exception do
    begin
      WriteLn(StdErr, 'fpconv: ', E.ClassName, ': ', E.Message);
      Halt(1);
    end;
  end;
end.
