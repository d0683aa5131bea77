UPDATE `Property` SET `Value` = 'EPS ファイル' WHERE `Property` = 'VarnockTypeName'
UPDATE `Property` SET `Value` = '.EPS ファイルを作成ソフトに合わせて開くランチャー' WHERE `Property` = 'VarnockDescription'
UPDATE `Property` SET `Value` = '新しいバージョンの Varnock がすでにインストールされています。このバージョンをインストールするには、先に Varnock をアンインストールしてください。' WHERE `Property` = 'VarnockDowngradeMessage'
UPDATE `Shortcut` SET `Description` = 'Varnock が起動するソフトの一覧を編集します' WHERE `Shortcut` = 'QuelbyShortcut'
