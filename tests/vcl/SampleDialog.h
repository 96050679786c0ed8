// A stored dialog with one control of each kind, as a project's form text carries them.
#pragma once

namespace qnl::test {

inline const char* const kSampleDialog = R"(object dlgOptions: TformMain
  Left = 200
  Top = 100
  BorderStyle = bsDialog
  Caption = 'Installation options'
  ClientHeight = 330
  ClientWidth = 440
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  ActiveControl = edtName
  PixelsPerInch = 96
  TextHeight = 13
  object pnlTop: TPanel
    Left = 0
    Top = 0
    Width = 440
    Height = 41
    Align = alTop
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 0
    object lblTitle: TLabel
      Left = 12
      Top = 6
      Width = 300
      Height = 13
      Caption = 'Choose how to install Sample Application'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
    end
    object lblSub: TLabel
      Left = 24
      Top = 22
      Width = 208
      Height = 13
      Caption = 'Your name, the kind of installation and the parts.'
    end
  end
  object bvlTop: TBevel
    Left = 0
    Top = 41
    Width = 440
    Height = 2
    Align = alTop
    Shape = bsTopLine
  end
  object lblName: TLabel
    Left = 12
    Top = 56
    Width = 55
    Height = 13
    Caption = 'User &name:'
    FocusControl = edtName
  end
  object edtName: TEdit
    Left = 100
    Top = 52
    Width = 200
    Height = 21
    TabOrder = 2
    Text = 'Jane Doe'
  end
  object rgKind: TRadioGroup
    Left = 12
    Top = 84
    Width = 200
    Height = 81
    Caption = 'Kind of installation'
    ItemIndex = 0
    Items.Strings = (
      'Typical'
      'Compact'
      'Custom')
    TabOrder = 3
  end
  object gbParts: TGroupBox
    Left = 224
    Top = 84
    Width = 204
    Height = 81
    Caption = 'Parts'
    TabOrder = 4
    object cbHelp: TCheckBox
      Left = 10
      Top = 20
      Width = 180
      Height = 17
      Caption = 'Help &files'
      Checked = True
      State = cbChecked
      TabOrder = 0
    end
    object cbSamples: TCheckBox
      Left = 10
      Top = 44
      Width = 180
      Height = 17
      Caption = 'Samples'
      TabOrder = 1
    end
  end
  object lbFolders: TListBox
    Left = 12
    Top = 174
    Width = 200
    Height = 70
    ItemHeight = 13
    Items.Strings = (
      'Tools'
      'Accessories'
      'Games')
    Sorted = True
    TabOrder = 5
  end
  object tcView: TTabControl
    Left = 224
    Top = 174
    Width = 204
    Height = 70
    TabOrder = 6
    Tabs.Strings = (
      'Disk'
      'Network')
    TabIndex = 0
    object lblSpace: TLabel
      Left = 8
      Top = 32
      Width = 150
      Height = 13
      Caption = 'Space needed: 12 MB'
    end
  end
  object pbSpace: TProgressBar
    Left = 12
    Top = 254
    Width = 416
    Height = 16
    Position = 40
    TabOrder = 7
  end
  object pnlButtons: TPanel
    Left = 0
    Top = 284
    Width = 440
    Height = 46
    Align = alBottom
    BevelInner = bvRaised
    BevelOuter = bvLowered
    BevelWidth = 1
    BorderWidth = 2
    TabOrder = 8
    object btnOK: TBitBtn
      Left = 262
      Top = 10
      Width = 75
      Height = 25
      Anchors = [akRight, akBottom]
      TabOrder = 0
      Kind = bkOK
    end
    object btnCancel: TBitBtn
      Left = 350
      Top = 10
      Width = 75
      Height = 25
      Anchors = [akRight, akBottom]
      TabOrder = 1
      Kind = bkCancel
    end
  end
end
)";

} // namespace qnl::test
