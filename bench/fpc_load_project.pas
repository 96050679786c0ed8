{ Peer of the loading benchmark: Free Pascal's own reader loads the same binary resource
  into components with the same class names and properties. }
program fpc_load_project;
{$mode objfpc}{$H+}
uses Classes, SysUtils;

type
  TTestKind = (tkFirst, tkSecond, tkThird);
  TTestKinds = set of TTestKind;

  TTestComp = class(TComponent)
  private
    FCount, FLeft, FTop: Integer;
    FText: string;
    FKind: TTestKind;
    FKinds: TTestKinds;
    FRatio: Double;
    FOther: TTestComp;
    FLines: TStrings;
    procedure SetLines(Value: TStrings);
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
  published
    property Count: Integer read FCount write FCount;
    property Text: string read FText write FText;
    property Kind: TTestKind read FKind write FKind;
    property Kinds: TTestKinds read FKinds write FKinds;
    property Ratio: Double read FRatio write FRatio;
    property Other: TTestComp read FOther write FOther;
    property Lines: TStrings read FLines write SetLines;
    property Left: Integer read FLeft write FLeft;
    property Top: Integer read FTop write FTop;
  end;

  TTestForm = class(TComponent);

constructor TTestComp.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FLines := TStringList.Create;
end;

destructor TTestComp.Destroy;
begin
  FLines.Free;
  inherited Destroy;
end;

procedure TTestComp.SetLines(Value: TStrings);
begin
  FLines.Assign(Value);
end;

var
  data: TMemoryStream;
  form: TTestForm;
  i, loads: Integer;
  start: QWord;
begin
  RegisterClass(TTestComp);
  data := TMemoryStream.Create;
  data.LoadFromFile(ParamStr(1));
  loads := StrToInt(ParamStr(2));
  start := GetTickCount64;
  for i := 1 to loads do
  begin
    form := TTestForm.Create(nil);
    data.Position := 0;
    data.ReadComponent(form);
    if form.ComponentCount = 0 then Halt(1);
    form.Free;
  end;
  WriteLn(Format('%.3f', [(GetTickCount64 - start) / loads]));
  data.Free;
end.
