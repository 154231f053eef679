<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Vokari</name>
    <message>
        <source>Vokari はすでに起動しています。</source>
        <translation>Vokari is already running.</translation>
    </message>
</context>
<context>
    <name>vokari::ui::AboutDialog</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Version : Prototype R.0.0.6</source>
        <translation>Version : Prototype R.0.0.6</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ情報(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation>System information is not available at this time</translation>
    </message>
</context>
<context>
    <name>vokari::ui::AircraftEnablerWindow</name>
    <message>
        <source>航空機ファイル設定</source>
        <translation>Aircraft Files</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>DEF</source>
        <translation>DEF</translation>
    </message>
    <message>
        <source>デフォルト航空機は無効化できません。</source>
        <translation>Stock aircraft cannot be switched off.</translation>
    </message>
    <message>
        <source>編集する場合は[オプション]メニューから</source>
        <translation>To change them, choose</translation>
    </message>
    <message>
        <source>[デフォルト航空機の編集を許可]を選択してください。</source>
        <translation>[Permit Editing Stock Aircraft] in the [Options] menu.</translation>
    </message>
    <message>
        <source>航空機の一覧を読み込めませんでした。</source>
        <translation>The list of aircraft could not be read.</translation>
    </message>
    <message>
        <source>航空機を有効にする</source>
        <translation>Switch aircraft on</translation>
    </message>
    <message>
        <source>航空機を無効にする</source>
        <translation>Switch aircraft off</translation>
    </message>
    <message>
        <source>航空機ファイルを削除する</source>
        <translation>Delete aircraft files</translation>
    </message>
    <message>
        <source>インストール済航空機</source>
        <translation>Installed aircraft</translation>
    </message>
    <message>
        <source>有効(&amp;A)</source>
        <translation>Switch &amp;On</translation>
    </message>
    <message>
        <source>無効(&amp;I)</source>
        <translation>Switch O&amp;ff</translation>
    </message>
    <message>
        <source>航空機ファイルを削除(&amp;D)</source>
        <translation>&amp;Delete Aircraft Files</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>デフォルト航空機の編集を許可(&amp;P)</source>
        <translation>&amp;Permit Editing Stock Aircraft</translation>
    </message>
    <message>
        <source>削除時に計器ファイルも削除する(&amp;G)</source>
        <translation>Delete &amp;Gauge Files Too</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>デフォルト</source>
        <translation>Stock</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>表示名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>選択した航空機の中にデフォルト航空機が含まれています。</source>
        <translation>The selected aircraft include stock aircraft.</translation>
    </message>
    <message>
        <source>デフォルト航空機は削除できません。</source>
        <translation>Stock aircraft cannot be deleted.</translation>
    </message>
    <message>
        <source>選択した航空機のファイルを削除しますか？</source>
        <translation>Delete the files of the selected aircraft?</translation>
    </message>
    <message>
        <source>航空機ファイルを削除できませんでした。</source>
        <translation>The aircraft files could not be deleted.</translation>
    </message>
    <message>
        <source>削除できなかったファイルがあります。</source>
        <translation>Some files could not be deleted.</translation>
    </message>
    <message>
        <source>次の航空機の有効・無効を保存できませんでした。</source>
        <translation>Could not save whether this aircraft is on or off:</translation>
    </message>
    <message>
        <source>航空機の有効・無効を保存できませんでした。</source>
        <translation>Could not save which aircraft are on or off.</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>音声: %1
パネル: %2</source>
        <translation>Sound: %1
Panel: %2</translation>
    </message>
    <message>
        <source>削除した航空機は変更履歴から元に戻せます。</source>
        <translation>Deleted aircraft can be brought back from the History.</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n 個のファイルまたはフォルダが残っています。</source>
        <translation>
            <numerusform>%1: %n file or folder remains.</numerusform>
            <numerusform>%1: %n files or folders remain.</numerusform>
        </translation>
    </message>
    <message>
        <source>航空機ファイルが残っているため、一覧に残しています。</source>
        <translation>Its aircraft file remains, so it stays in the list.</translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 件</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 機: %1</source>
        <translation>
            <numerusform>and %n more aircraft: %1</numerusform>
            <numerusform>and %n more aircraft: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 機</source>
        <translation>
            <numerusform>and %n more aircraft</numerusform>
            <numerusform>and %n more aircraft</numerusform>
        </translation>
    </message>
    <message>
        <source>削除しています: %1</source>
        <translation>Deleting: %1</translation>
    </message>
</context>
<context>
    <name>vokari::ui::AliasSettingWindow</name>
    <message>
        <source>音声・パネルファイル設定</source>
        <translation>Sound and Panel Files</translation>
    </message>
    <message>
        <source>航空機の一覧を読み込めませんでした。</source>
        <translation>The list of aircraft could not be read.</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>音声</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>パネル</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Aliasを使用している航空機</source>
        <translation>Aircraft that borrow</translation>
    </message>
    <message>
        <source>データを持っている航空機</source>
        <translation>Aircraft with data of their own</translation>
    </message>
    <message>
        <source>変更(&amp;C)</source>
        <translation>&amp;Change</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>サウンド(&amp;S)</source>
        <translation>&amp;Sound</translation>
    </message>
    <message>
        <source>パネル(&amp;P)</source>
        <translation>&amp;Panel</translation>
    </message>
    <message>
        <source>表示名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>データを持っている航空機を選択してください。</source>
        <translation>Select an aircraft that has data of its own.</translation>
    </message>
    <message>
        <source>次の航空機には「%1」フォルダがないため、Aliasを設定できません。</source>
        <translation>These aircraft have no “%1” folder and cannot borrow:</translation>
    </message>
    <message>
        <source>音声・パネルファイルを保存できませんでした。</source>
        <translation>Could not save the sound and panel files.</translation>
    </message>
    <message>
        <source>音声編集</source>
        <translation>Editing sounds</translation>
    </message>
    <message>
        <source>パネル編集</source>
        <translation>Editing panels</translation>
    </message>
    <message>
        <source>次の航空機の音声・パネルファイルを保存できませんでした。</source>
        <translation>Could not save the sound and panel files of this aircraft:</translation>
    </message>
</context>
<context>
    <name>vokari::ui::ArcFileModel</name>
    <message>
        <source>上書</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>パス</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>インストール</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>インストールパス</source>
        <translation>Destination</translation>
    </message>
</context>
<context>
    <name>vokari::ui::ArcInstallWindow</name>
    <message>
        <source>CFSファイルインストール</source>
        <translation>Install CFS Files</translation>
    </message>
    <message>
        <source>ZIP : 使用可</source>
        <translation>ZIP : available</translation>
    </message>
    <message>
        <source>ZIP : 使用不可</source>
        <translation>ZIP : not available</translation>
    </message>
    <message>
        <source>LHA : 使用可</source>
        <translation>LHA : available</translation>
    </message>
    <message>
        <source>LHA : 使用不可</source>
        <translation>LHA : not available</translation>
    </message>
    <message>
        <source>圧縮ファイルを開く</source>
        <translation>Open a package</translation>
    </message>
    <message>
        <source>解凍先のフォルダを指定する</source>
        <translation>Choose the destination folder</translation>
    </message>
    <message>
        <source>選択したファイルの解凍先を検索する</source>
        <translation>Search the destination of the selected file</translation>
    </message>
    <message>
        <source>選択したファイルの内容を表示する</source>
        <translation>Show the selected files</translation>
    </message>
    <message>
        <source>解凍する</source>
        <translation>Unpack</translation>
    </message>
    <message>
        <source>圧縮ファイルパス</source>
        <translation>Package</translation>
    </message>
    <message>
        <source>CFSインストール先</source>
        <translation>CFS folder</translation>
    </message>
    <message>
        <source>ファイル一覧（ ↓ ここにZIP / LHA 形式のファイルをドラッグ＆ドロップしてください）</source>
        <translation>Files (drop a ZIP or LHA package here)</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>解凍先ディレクトリの指定(&amp;D)</source>
        <translation>Choose the &amp;destination folder...</translation>
    </message>
    <message>
        <source>選択したファイルの解凍先を検索(&amp;F)</source>
        <translation>&amp;Find the destination of the selected file...</translation>
    </message>
    <message>
        <source>選択したファイルの内容を表示(&amp;V)</source>
        <translation>&amp;View the selected files</translation>
    </message>
    <message>
        <source>解凍(&amp;E)</source>
        <translation>Unpac&amp;k</translation>
    </message>
    <message>
        <source>右クリック</source>
        <translation>Right click</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>解凍先ディレクトリの指定</source>
        <translation>Choose the destination folder...</translation>
    </message>
    <message>
        <source>選択したファイルの解凍先を検索</source>
        <translation>Find the destination of the selected file...</translation>
    </message>
    <message>
        <source>選択したファイルの内容を表示</source>
        <translation>View the selected files</translation>
    </message>
    <message>
        <source>ファイルの読み込みに失敗しました</source>
        <translation>The file could not be read.</translation>
    </message>
    <message>
        <source>対応する全てのファイル (*.zip *.lzh *.exe);;ZIPアーカイブ (*.zip *.exe);;LHAアーカイブ (*.lzh *.exe)</source>
        <translation>All packages (*.zip *.lzh *.exe);;ZIP archives (*.zip *.exe);;LHA archives (*.lzh *.exe)</translation>
    </message>
    <message>
        <source>ZIPアーカイブ (*.zip *.exe)</source>
        <translation>ZIP archives (*.zip *.exe)</translation>
    </message>
    <message>
        <source>LHAアーカイブ (*.lzh *.exe)</source>
        <translation>LHA archives (*.lzh *.exe)</translation>
    </message>
    <message>
        <source>ZIPファイル (*.ZIP)</source>
        <translation>ZIP files (*.ZIP)</translation>
    </message>
    <message>
        <source>アーカイブファイルを指定してください</source>
        <translation>Choose a package</translation>
    </message>
    <message>
        <source>UNZIP32.DLLが見つかりません。</source>
        <translation>The ZIP library cannot be found.</translation>
    </message>
    <message>
        <source>この機能を使用するにはUNZIP32.DLLをインストールしてください｡</source>
        <translation>Install it to use this function.</translation>
    </message>
    <message>
        <source>UNLHA32.DLLが見つかりません。</source>
        <translation>The LHA library cannot be found.</translation>
    </message>
    <message>
        <source>この機能を使用するにはUNLHA32.DLLをインストールしてください｡</source>
        <translation>Install it to use this function.</translation>
    </message>
    <message>
        <source>このファイルは選択しているCFSのバージョンでは</source>
        <translation>This package may not work</translation>
    </message>
    <message>
        <source>動作しない可能性があります。</source>
        <translation>with the CFS version chosen.</translation>
    </message>
    <message>
        <source>継続しますか？</source>
        <translation>Go on?</translation>
    </message>
    <message>
        <source>このファイルはサポートされている形式ではありません。</source>
        <translation>This file is not in a supported format.</translation>
    </message>
    <message>
        <source>ファイル名：</source>
        <translation>File: </translation>
    </message>
    <message>
        <source>この圧縮ファイル内に、さらに%1個の圧縮ファイルが存在します。</source>
        <translation>This package holds %1 more package(s).</translation>
    </message>
    <message>
        <source>ファイルを展開しますか？</source>
        <translation>Read them as well?</translation>
    </message>
    <message>
        <source>解凍先ディレクトリを指定してください。</source>
        <translation>Choose the destination folder.</translation>
    </message>
    <message>
        <source>ファイルの解凍先を指定してください</source>
        <translation>Choose where the file goes</translation>
    </message>
    <message>
        <source>ファイルを表示できませんでした。</source>
        <translation>The file could not be shown.</translation>
    </message>
    <message>
        <source>解凍を実行した場合に上書きされるファイルが存在します。</source>
        <translation>Unpacking would replace existing files.</translation>
    </message>
    <message>
        <source>上書きしますか？</source>
        <translation>Replace them?</translation>
    </message>
    <message>
        <source>&#x3000;[はい]を選択すると上書きします。</source>
        <translation>  [Yes] replaces them.</translation>
    </message>
    <message>
        <source>&#x3000;[いいえ]を選択すると上書きしないファイルのみ解凍します。</source>
        <translation>  [No] unpacks only the files that replace nothing.</translation>
    </message>
    <message>
        <source>&#x3000;[キャンセル]を選択すると解凍しません。</source>
        <translation>  [Cancel] unpacks nothing.</translation>
    </message>
    <message>
        <source>解凍を実行しますか？</source>
        <translation>Unpack the package?</translation>
    </message>
    <message>
        <source>解凍しています...</source>
        <translation>Unpacking...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>中止しています...</source>
        <translation>Stopping...</translation>
    </message>
    <message>
        <source>解凍が完了しました。</source>
        <translation>Unpacking is complete.</translation>
    </message>
    <message>
        <source>解凍を中止しました。</source>
        <translation>Unpacking was cancelled.</translation>
    </message>
    <message>
        <source>%1 個中 %2 個のファイルを処理しました。</source>
        <translation>%2 of %1 files were done.</translation>
    </message>
    <message>
        <source>次のファイルは解凍できませんでした。</source>
        <translation>These files were not unpacked:</translation>
    </message>
    <message>
        <source>ほか %1 個</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>解凍できなかったファイルがあります。</source>
        <translation>Some files were not unpacked.</translation>
    </message>
    <message>
        <source>変更履歴(&amp;H)...</source>
        <translation>&amp;History...</translation>
    </message>
    <message>
        <source>インストールを元に戻すには、変更履歴で「%1」の項目を選んで元に戻してください。</source>
        <translation>To undo the install, select the entry &quot;%1&quot; in the History and undo it.</translation>
    </message>
    <message>
        <source>No. %1</source>
        <translation>No. %1</translation>
    </message>
    <message>
        <source>変更履歴を開きますか？</source>
        <translation>Open the History now?</translation>
    </message>
    <message numerus="yes">
        <source>書き込んだファイル: %n 個</source>
        <translation>
            <numerusform>Files written: %n</numerusform>
            <numerusform>Files written: %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>すでにあったのでそのままにしたファイル: %n 個</source>
        <translation>
            <numerusform>Files already there, left as they were: %n</numerusform>
            <numerusform>Files already there, left as they were: %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>解凍できなかったファイル: %n 個</source>
        <translation>
            <numerusform>Files not unpacked: %n</numerusform>
            <numerusform>Files not unpacked: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>ZIP 形式の圧縮ファイルとして開けません。</source>
        <translation>It cannot be opened as a ZIP archive.</translation>
    </message>
    <message>
        <source>LHA 形式の圧縮ファイルとして開けません。</source>
        <translation>It cannot be opened as an LHA archive.</translation>
    </message>
    <message>
        <source>ZIP 形式、LHA 形式のどちらの圧縮ファイルも見つかりません。</source>
        <translation>It holds neither a ZIP nor an LHA archive.</translation>
    </message>
    <message>
        <source>同じパスのファイルが複数含まれています。</source>
        <translation>It holds more than one file with the same path.</translation>
    </message>
    <message>
        <source>この種類のファイルを開くプログラムがありません。</source>
        <translation>No program opens this kind of file.</translation>
    </message>
    <message>
        <source>圧縮ファイル内のデータが壊れています。</source>
        <translation>Its data in the package is damaged.</translation>
    </message>
    <message>
        <source>圧縮ファイルが読み込んだ後で変更されています。開き直してください。</source>
        <translation>The package has changed since it was read. Open it again.</translation>
    </message>
    <message>
        <source>シンボリックリンクは解凍しません。</source>
        <translation>Symbolic links are not unpacked.</translation>
    </message>
    <message>
        <source>ハードリンクは解凍しません。</source>
        <translation>Hard links are not unpacked.</translation>
    </message>
    <message>
        <source>デバイスなどの特殊なファイルは解凍しません。</source>
        <translation>Devices and other special files are not unpacked.</translation>
    </message>
    <message>
        <source>ファイル名として使えない名前です。</source>
        <translation>Its name cannot be used as a file name.</translation>
    </message>
    <message>
        <source>解凍先がゲームのフォルダの外です。</source>
        <translation>Its destination is outside the game folder.</translation>
    </message>
    <message>
        <source>解凍先のフォルダ名に使えない文字があります。</source>
        <translation>Its destination folder has a character that cannot be used in a name.</translation>
    </message>
    <message>
        <source>バックアップ (.bak) の名前のものがファイルでないので、元のファイルをそのままにしました。</source>
        <translation>Something other than a file has the name of its backup (.bak), so the file there was left as it was.</translation>
    </message>
    <message>
        <source>バックアップ (.bak) を作れないので、元のファイルをそのままにしました。%1</source>
        <translation>No backup (.bak) could be made, so the file there was left as it was. %1</translation>
    </message>
    <message>
        <source>バックアップ (.bak) を作れないので、元のファイルをそのままにしました。</source>
        <translation>No backup (.bak) could be made, so the file there was left as it was.</translation>
    </message>
    <message>
        <source>同じ場所に解凍されるファイルがほかにあります。</source>
        <translation>Another file of the package unpacks to the same place.</translation>
    </message>
    <message>
        <source>圧縮ファイルを読み取れません。</source>
        <translation>The package cannot be read.</translation>
    </message>
    <message>
        <source>バックアップ (.bak、.org) と同じ名前なので解凍しません。</source>
        <translation>It is named like a backup (.bak, .org), so it is not unpacked.</translation>
    </message>
</context>
<context>
    <name>vokari::ui::CfsCopyFilesWindow</name>
    <message>
        <source>CFS1 → CFS2 ファイル コピー</source>
        <translation>Copy Files CFS1 → CFS2</translation>
    </message>
    <message>
        <source>コピーを実行してよろしいですか？</source>
        <translation>Run the copy?</translation>
    </message>
    <message>
        <source>コピー中のファイル</source>
        <translation>File being copied</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>CFS1 と CFS2 の両方がインストールされていません。</source>
        <translation>CFS1 and CFS2 are not both installed.</translation>
    </message>
    <message>
        <source>コピーを続けられませんでした。</source>
        <translation>The copy could not go on.</translation>
    </message>
    <message>
        <source>コピーが完了しました。</source>
        <translation>The copy is complete.</translation>
    </message>
    <message>
        <source>コピーを中止しました。</source>
        <translation>The copy was cancelled.</translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルまたはフォルダをコピーできませんでした。</source>
        <translation>
            <numerusform>%n file or folder could not be copied.</numerusform>
            <numerusform>%n files or folders could not be copied.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 件</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>Windows のパスに使えない文字を含む名前です。</source>
        <translation>The name holds a character a Windows path cannot hold.</translation>
    </message>
    <message>
        <source>シンボリックリンクはたどりません。</source>
        <translation>A symbolic link is not followed.</translation>
    </message>
    <message>
        <source>フォルダを読み込めません。</source>
        <translation>The folder cannot be read.</translation>
    </message>
    <message>
        <source>CFS2 にこのフォルダがありません。</source>
        <translation>CFS2 has no such folder.</translation>
    </message>
    <message>
        <source>CFS2 に同じ名前のファイルまたはフォルダがあります。</source>
        <translation>CFS2 has a file or folder of the same name.</translation>
    </message>
    <message>
        <source>フォルダをコピーできませんでした。</source>
        <translation>Its folder could not be copied.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>コピーしたファイル: %n 個</source>
        <translation>
            <numerusform>Files copied: %n</numerusform>
            <numerusform>Files copied: %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>CFS2 にあったのでそのままにしたファイル: %n 個</source>
        <translation>
            <numerusform>Files CFS2 already had, left as they were: %n</numerusform>
            <numerusform>Files CFS2 already had, left as they were: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>Windows では装置の名前です。</source>
        <translation>Windows reserves this name for a device.</translation>
    </message>
    <message>
        <source>Windows は名前の末尾のピリオドや空白を取り除きます。</source>
        <translation>Windows drops a dot or space at the end of a name.</translation>
    </message>
    <message>
        <source>CFS2 の文字コード (%1) で表せない文字を含む名前です。</source>
        <translation>The name holds characters that CFS2&apos;s code page (%1) cannot spell.</translation>
    </message>
    <message>
        <source>大文字と小文字だけが違う名前のファイルを、すでに CFS2 にコピーしました。</source>
        <translation>A file whose name differs only in letter case was already copied to CFS2.</translation>
    </message>
    <message>
        <source>CFS1 の AIRCRAFT フォルダと GAUGES フォルダ（機体とゲージ。標準の機体も含みます）から、CFS2 にないファイルとフォルダを CFS2 の同じフォルダに追加します。CFS2 にあるファイルは置き換えません。バックアップ（.bak、.org）はコピーしません。</source>
        <translation>Files and folders of CFS1&apos;s AIRCRAFT and GAUGES folders (aircraft and gauges, the stock aircraft included) that CFS2 lacks are added to the same folders of CFS2. No file of CFS2 is replaced. Backups (.bak, .org) are not copied.</translation>
    </message>
    <message>
        <source>コピー元: %1</source>
        <translation>From: %1</translation>
    </message>
    <message>
        <source>コピー先: %1</source>
        <translation>To: %1</translation>
    </message>
</context>
<context>
    <name>vokari::ui::CfsSettingWindow</name>
    <message>
        <source>CFS設定</source>
        <translation>CFS Settings</translation>
    </message>
    <message>
        <source>設定ファイルを読み込めませんでした。</source>
        <translation>The settings file could not be read.</translation>
    </message>
    <message>
        <source>基本設定</source>
        <translation>General</translation>
    </message>
    <message>
        <source>マルチプレーヤー</source>
        <translation>Multiplayer</translation>
    </message>
    <message>
        <source>オープニングロゴを表示する</source>
        <translation>Show the opening logo</translation>
    </message>
    <message>
        <source>CFS起動時に表示されるMicrosoft ロゴを有効／無効を設定します</source>
        <translation>Shows or hides the Microsoft logo when CFS starts</translation>
    </message>
    <message>
        <source>オープニングムービーを表示する</source>
        <translation>Show the opening movie</translation>
    </message>
    <message>
        <source>CFS起動時に表示されるムービーを有効／無効を設定します</source>
        <translation>Shows or hides the movie when CFS starts</translation>
    </message>
    <message>
        <source>プレーヤー名</source>
        <translation>Player name</translation>
    </message>
    <message>
        <source>プレーヤー名を設定します（CFS2でも初期表示されます）</source>
        <translation>Sets the player name (CFS2 also shows it at first)</translation>
    </message>
    <message>
        <source>プレーヤー表示色</source>
        <translation>Player colour</translation>
    </message>
    <message>
        <source>衝突時の停止時間(秒)</source>
        <translation>Pause after a collision (seconds)</translation>
    </message>
    <message>
        <source>衝突時に何回も爆発する場合は０に設定してください</source>
        <translation>Set it to 0 if a collision explodes again and again</translation>
    </message>
    <message>
        <source>初期値：2</source>
        <translation>Default: 2</translation>
    </message>
    <message>
        <source>チートの警告を表示する</source>
        <translation>Show cheat warnings</translation>
    </message>
    <message>
        <source>CFSに組み込まれているチート機能を使用している場合に警告を表示します</source>
        <translation>Warns when the cheats built into CFS are in use</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>数字を入れてください</source>
        <translation>Please enter a number</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。</source>
        <translation>The settings could not be saved.</translation>
    </message>
    <message>
        <source>次の文字は保存できません：%1</source>
        <translation>These characters cannot be saved: %1</translation>
    </message>
    <message>
        <source>設定ファイルは、読み込んだ後に変更されています。</source>
        <translation>The settings file has changed since it was read.</translation>
    </message>
    <message>
        <source>変更した設定を書き込みますか？</source>
        <translation>Write the changed settings into it?</translation>
    </message>
</context>
<context>
    <name>vokari::ui::DirDialog</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vokari::ui::EditingToolWindow</name>
    <message>
        <source>データは変更されています。変更を保存しますか？</source>
        <translation>The data has been changed. Save the changes?</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
</context>
<context>
    <name>vokari::ui::FindFilesDialog</name>
    <message>
        <source>ファイル検索</source>
        <translation>Find Files</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>設 定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>検索結果</source>
        <translation>Results</translation>
    </message>
</context>
<context>
    <name>vokari::ui::HistoryWindow</name>
    <message>
        <source>インストール</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>航空機の有効・無効</source>
        <translation>Aircraft on/off</translation>
    </message>
    <message>
        <source>航空機の削除</source>
        <translation>Aircraft deletion</translation>
    </message>
    <message>
        <source>音声・パネルの設定</source>
        <translation>Sound and panel aliases</translation>
    </message>
    <message>
        <source>クイックコンバットの保存</source>
        <translation>Quick combat save</translation>
    </message>
    <message>
        <source>クイックコンバットの整形</source>
        <translation>Quick combat normalize</translation>
    </message>
    <message>
        <source>ゲーム設定</source>
        <translation>Game settings</translation>
    </message>
    <message>
        <source>ゲーム設定（コマンドライン）</source>
        <translation>Game settings (command line)</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>置換</source>
        <translation>Replaced</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Removed</translation>
    </message>
    <message>
        <source>フォルダ作成</source>
        <translation>Folder created</translation>
    </message>
    <message>
        <source>フォルダ移動</source>
        <translation>Folder moved away</translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイル</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message>
        <source>変更履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>ゲームフォルダ: %1</source>
        <translation>Game folder: %1</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Tool</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>変更の一覧（新しい順）</source>
        <translation>Changes (newest first)</translation>
    </message>
    <message>
        <source>選択した変更のファイル</source>
        <translation>Files of the selected change</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>最新の情報に更新(&amp;R)</source>
        <translation>&amp;Refresh</translation>
    </message>
    <message>
        <source>元に戻し済み</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>No. %1 で元に戻しました。</source>
        <translation>Undone by No. %1.</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Interrupted</translation>
    </message>
    <message>
        <source>操作が最後まで記録されていません。</source>
        <translation>The operation was not recorded to its end.</translation>
    </message>
    <message>
        <source>完了</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>不明</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>この変更は行われませんでした。</source>
        <translation>This change was not made.</translation>
    </message>
    <message>
        <source>操作が中断され、この変更が行われたかどうか分かりません。</source>
        <translation>The operation was interrupted; this change may or may not have been made.</translation>
    </message>
    <message>
        <source>No. %1  %2  %3「%4」</source>
        <translation>No. %1  %2  %3 &quot;%4&quot;</translation>
    </message>
    <message>
        <source>No. %1</source>
        <translation>No. %1</translation>
    </message>
    <message>
        <source>%1（フォルダ）</source>
        <translation>%1 (folder)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>  ほか %n 件</source>
        <translation>
            <numerusform>  and %n more</numerusform>
            <numerusform>  and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>削除したもの（%n 件）:</source>
        <translation>
            <numerusform>Removed (%n):</numerusform>
            <numerusform>Removed (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>削除するもの（%n 件）:</source>
        <translation>
            <numerusform>To remove (%n):</numerusform>
            <numerusform>To remove (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>元に戻したもの（%n 件）:</source>
        <translation>
            <numerusform>Put back (%n):</numerusform>
            <numerusform>Put back (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>元に戻すもの（%n 件）:</source>
        <translation>
            <numerusform>To put back (%n):</numerusform>
            <numerusform>To put back (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>そのままにしたもの（%n 件）:</source>
        <translation>
            <numerusform>Left alone (%n):</numerusform>
            <numerusform>Left alone (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>そのままにするもの（%n 件）:</source>
        <translation>
            <numerusform>To leave alone (%n):</numerusform>
            <numerusform>To leave alone (%n):</numerusform>
        </translation>
    </message>
    <message>
        <source>次の変更を元に戻します。</source>
        <translation>This change will be undone:</translation>
    </message>
    <message numerus="yes">
        <source>このあとの %n 件の変更が同じファイルを変更しています。それらも先に元に戻します。</source>
        <translation>
            <numerusform>%n later change touches the same files; it will be undone first:</numerusform>
            <numerusform>%n later changes touch the same files; they will be undone first:</numerusform>
        </translation>
    </message>
    <message>
        <source>これらの変更をまとめて元に戻しますか？</source>
        <translation>Undo all these changes?</translation>
    </message>
    <message>
        <source>元に戻しますか？</source>
        <translation>Undo it?</translation>
    </message>
    <message>
        <source>このあとの変更が同じファイルを変更したため、元に戻しませんでした。</source>
        <translation>Nothing was undone: later changes touch the same files:</translation>
    </message>
    <message>
        <source>何も変更しませんでした。</source>
        <translation>Nothing was changed.</translation>
    </message>
    <message numerus="yes">
        <source>%n 件の変更を元に戻しました。</source>
        <translation>
            <numerusform>Undid %n change.</numerusform>
            <numerusform>Undid %n changes.</numerusform>
        </translation>
    </message>
    <message>
        <source>元に戻しました。</source>
        <translation>Undone.</translation>
    </message>
    <message>
        <source>次の変更を元に戻せません。</source>
        <translation>This change cannot be undone:</translation>
    </message>
    <message>
        <source>次の変更には、元に戻せるものがありません。</source>
        <translation>Nothing of this change can be undone:</translation>
    </message>
    <message>
        <source>次の変更を元に戻せませんでした。</source>
        <translation>This change could not be undone:</translation>
    </message>
    <message>
        <source>No. %1「%2」</source>
        <translation>No. %1 &quot;%2&quot;</translation>
    </message>
    <message>
        <source>変更の一覧: 記録された変更はありません。</source>
        <translation>Changes: none recorded.</translation>
    </message>
    <message>
        <source>その後に変更されています</source>
        <translation>it was changed since</translation>
    </message>
    <message>
        <source>同じ名前のファイルがまた置かれています</source>
        <translation>a file of that name is there again</translation>
    </message>
    <message>
        <source>同じ名前のフォルダがまた置かれています</source>
        <translation>a folder of that name is there again</translation>
    </message>
    <message>
        <source>ほかのファイルが入っています</source>
        <translation>it holds other files</translation>
    </message>
    <message>
        <source>実行中</source>
        <translation>running</translation>
    </message>
    <message>
        <source>別の Vokari が記録しています。</source>
        <translation>Another Vokari is recording it.</translation>
    </message>
</context>
<context>
    <name>vokari::ui::MessageBoxPrompt</name>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vokari::ui::OpenFileDialog</name>
    <message>
        <source>フォルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>%1 ファイル</source>
        <translation>%1 File</translation>
    </message>
    <message>
        <source>ショートカット</source>
        <translation>Shortcut</translation>
    </message>
</context>
<context>
    <name>vokari::ui::QcEditWindow</name>
    <message>
        <source>クイックコンバット編集</source>
        <translation>Quick Combat Editor</translation>
    </message>
    <message>
        <source>航空機の一覧を読み込めませんでした。</source>
        <translation>The list of aircraft could not be read.</translation>
    </message>
    <message>
        <source>クイックコンバットファイルを読み込めませんでした。</source>
        <translation>The quick-combat file could not be read.</translation>
    </message>
    <message>
        <source>敵の航空機の種類を追加</source>
        <translation>Add an enemy group</translation>
    </message>
    <message>
        <source>敵の航空機の種類を編集</source>
        <translation>Edit the enemy group</translation>
    </message>
    <message>
        <source>敵の航空機の種類を削除</source>
        <translation>Delete the enemy group</translation>
    </message>
    <message>
        <source>インストールされた航空機を敵の航空機の種類に登録</source>
        <translation>Add the installed aircraft to the enemy group</translation>
    </message>
    <message>
        <source>航空機の種別を編集</source>
        <translation>Edit the aircraft type</translation>
    </message>
    <message>
        <source>敵の航空機の種類から航空機を削除</source>
        <translation>Remove the aircraft from the enemy group</translation>
    </message>
    <message>
        <source>インストール済航空機</source>
        <translation>Installed aircraft</translation>
    </message>
    <message>
        <source>敵の航空機の種類（グループ）</source>
        <translation>Enemy groups</translation>
    </message>
    <message>
        <source>グループに所属する航空機</source>
        <translation>Aircraft in the group</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>敵の航空機の種類を追加(&amp;E)</source>
        <translation>Add &amp;enemy group</translation>
    </message>
    <message>
        <source>敵の航空機の種類に航空機を追加(&amp;A)</source>
        <translation>&amp;Add aircraft to enemy group</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>編集２</source>
        <translation>Edit 2</translation>
    </message>
    <message>
        <source>追加(&amp;A)</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>表示名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>タイプ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>敵の航空機の種類を追加できませんでした。</source>
        <translation>The enemy group could not be added.</translation>
    </message>
    <message>
        <source>クイックコンバットファイルを保存できませんでした。</source>
        <translation>The quick-combat file could not be saved.</translation>
    </message>
    <message>
        <source>クイックコンバットファイルは、読み込んだ後に変更されています。</source>
        <translation>The quick-combat file has changed since it was read.</translation>
    </message>
    <message>
        <source>上書きして保存しますか？</source>
        <translation>Overwrite it and save?</translation>
    </message>
    <message>
        <source>クイックコンバットファイルは %1 行目から先を読み込めませんでした。</source>
        <translation>The quick-combat file could not be read from line %1 on.</translation>
    </message>
    <message>
        <source>保存すると、%1 行目とそれより後のグループや行は失われます。</source>
        <translation>Saving loses line %1 and every group and line after it.</translation>
    </message>
    <message>
        <source>このまま保存しますか？</source>
        <translation>Save anyway?</translation>
    </message>
    <message>
        <source>選択しているグループを、登録されている航空機ごと削除します。</source>
        <translation>Deletes the selected group together with the aircraft registered in it.</translation>
    </message>
    <message>
        <source>「グループに所属する航空機」で選択している航空機を、グループから外します。グループは残ります。</source>
        <translation>Removes the aircraft selected under &quot;Aircraft in the group&quot; from the group. The group stays.</translation>
    </message>
    <message numerus="yes">
        <source>敵の航空機の種類「%1」には、航空機が %n 機登録されています。</source>
        <translation>
            <numerusform>The enemy group &quot;%1&quot; holds %n aircraft.</numerusform>
            <numerusform>The enemy group &quot;%1&quot; holds %n aircraft.</numerusform>
        </translation>
    </message>
    <message>
        <source>このグループを削除しますか？</source>
        <translation>Delete this group?</translation>
    </message>
</context>
<context>
    <name>vokari::ui::QcGroupEditDialog</name>
    <message>
        <source>グループ編集</source>
        <translation>Edit Group</translation>
    </message>
    <message>
        <source>敵の航空機の種類（グループ）の名称</source>
        <translation>Name of the enemy group</translation>
    </message>
    <message>
        <source>設&#x3000;定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>名称を設定してください。</source>
        <translation>Please enter a name.</translation>
    </message>
</context>
<context>
    <name>vokari::ui::QcPlaneEditDialog</name>
    <message>
        <source>航空機編集</source>
        <translation>Edit Aircraft</translation>
    </message>
    <message>
        <source>航空機データパス</source>
        <translation>Aircraft folder</translation>
    </message>
    <message>
        <source>定義名（エイリアス）</source>
        <translation>Defined name (alias)</translation>
    </message>
    <message>
        <source>定義名（文字列）</source>
        <translation>Defined name (text)</translation>
    </message>
    <message>
        <source>航空機種別</source>
        <translation>Aircraft type</translation>
    </message>
    <message>
        <source>戦闘機</source>
        <translation>Fighter</translation>
    </message>
    <message>
        <source>爆撃機</source>
        <translation>Bomber</translation>
    </message>
    <message>
        <source>設&#x3000;定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vokari::ui::ToolWindow</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
</context>
<context>
    <name>vokari::ui::VokariWindow</name>
    <message>
        <source>Vokari Menu</source>
        <translation>Vokari Menu</translation>
    </message>
    <message>
        <source>CFS Version</source>
        <translation>CFS Version</translation>
    </message>
    <message>
        <source>Combat Flight Simulator 1 ヨーロッパ戦線</source>
        <translation>Combat Flight Simulator 1 WWII Europe</translation>
    </message>
    <message>
        <source>Combat Flight Simulator 2 太平洋戦線</source>
        <translation>Combat Flight Simulator 2 WWII Pacific Theater</translation>
    </message>
    <message>
        <source>終&#x3000;了</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Prototype R.0.0.6</source>
        <translation>Prototype R.0.0.6</translation>
    </message>
    <message>
        <source>CFS1・CFS2 プレイヤーのためのツール集</source>
        <translation>Tools for CFS1 and CFS2 players</translation>
    </message>
    <message>
        <source>Combat Flight Simulator がインストールされていません</source>
        <translation>Combat Flight Simulator is not installed</translation>
    </message>
    <message>
        <source>UNZIP32.DLLおよびUNLHA.DLLが見つかりません。</source>
        <translation>UNZIP32.DLL and UNLHA.DLL cannot be found.</translation>
    </message>
    <message>
        <source>この機能を使用するには UNZIP32.DLL あるいは</source>
        <translation>To use this function, install UNZIP32.DLL or</translation>
    </message>
    <message>
        <source>UNLHA32.DLLをインストールしてください｡ </source>
        <translation>UNLHA32.DLL.</translation>
    </message>
    <message>
        <source>作業ディレクトリの削除に失敗しました。</source>
        <translation>The work directory could not be deleted.</translation>
    </message>
    <message>
        <source>作業ディレクトリを手動で削除してください。</source>
        <translation>Please delete the work directory yourself.</translation>
    </message>
    <message>
        <source>作業ディレクトリは[%1]です。</source>
        <translation>The work directory is [%1].</translation>
    </message>
    <message>
        <source>Wine プレフィックス</source>
        <translation>Wine prefix</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>航空機ファイル設定</source>
        <translation>Aircraft Files</translation>
    </message>
    <message>
        <source>航空機を使用するかしないかを設定します</source>
        <translation>Chooses which aircraft the game uses</translation>
    </message>
    <message>
        <source>音声・パネルファイル設定</source>
        <translation>Sound and Panel Files</translation>
    </message>
    <message>
        <source>航空機のサウンド、パネルを他の機体データのものを利用するように変更します</source>
        <translation>Lets an aircraft use the sound or panel of another aircraft</translation>
    </message>
    <message>
        <source>クイックコンバット編集</source>
        <translation>Quick Combat Editor</translation>
    </message>
    <message>
        <source>クイックコンバットで使用するグループ、機体を設定します</source>
        <translation>Sets the groups and aircraft that quick combat uses</translation>
    </message>
    <message>
        <source>CFSファイルインストール</source>
        <translation>Install CFS Files</translation>
    </message>
    <message>
        <source>ZIP形式で配布されるファイルのインストールを支援します</source>
        <translation>Helps install files distributed as ZIP archives</translation>
    </message>
    <message>
        <source>CFS設定</source>
        <translation>CFS Settings</translation>
    </message>
    <message>
        <source>CFSから設定できない項目を設定します</source>
        <translation>Sets what CFS itself offers no screen for</translation>
    </message>
    <message>
        <source>CFS1 → CFS2 ファイル コピー</source>
        <translation>Copy Files CFS1 → CFS2</translation>
    </message>
    <message>
        <source>ほかのツールが開いています。閉じてから、もう一度ファイルを開いてください。</source>
        <translation>Another tool is open. Close it, then open the file again.</translation>
    </message>
    <message>
        <source>変更履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>ゲームフォルダに加えた変更を一覧し、元に戻します</source>
        <translation>Lists the changes made to the game folder and undoes them</translation>
    </message>
</context>
<context>
    <name>vokari::ui::failureText</name>
    <message>
        <source>次のファイルを読み込めませんでした。</source>
        <translation>Could not read this file:</translation>
    </message>
    <message>
        <source>次のファイルに書き込めませんでした。</source>
        <translation>Could not write this file:</translation>
    </message>
    <message>
        <source>次のフォルダを作成できませんでした。</source>
        <translation>Could not create this folder:</translation>
    </message>
    <message>
        <source>次のファイルを削除できませんでした。</source>
        <translation>Could not delete this file:</translation>
    </message>
    <message>
        <source>次のファイルを移動できませんでした。</source>
        <translation>Could not move this file:</translation>
    </message>
    <message>
        <source>次のフォルダは使用できません。</source>
        <translation>This folder cannot be used:</translation>
    </message>
    <message>
        <source>見つかりません。</source>
        <translation>It does not exist.</translation>
    </message>
    <message>
        <source>アクセスが許可されていません。</source>
        <translation>Permission denied.</translation>
    </message>
    <message>
        <source>読み取り専用です。</source>
        <translation>It is read-only.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が足りません。</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>同じ名前のフォルダがあります。</source>
        <translation>A folder of that name is in the way.</translation>
    </message>
    <message>
        <source>使用中です。</source>
        <translation>It is in use.</translation>
    </message>
    <message>
        <source>システムのエラー番号: %1</source>
        <translation>System error number: %1</translation>
    </message>
    <message>
        <source>次のファイルの %1 行目を読み取れません。</source>
        <translation>Line %1 of this file cannot be read:</translation>
    </message>
    <message>
        <source>次の文字列はゲームの文字コード (%1) で表せません。</source>
        <translation>This text cannot be written in the game&apos;s code page (%1):</translation>
    </message>
    <message>
        <source>「%1」</source>
        <translation>&quot;%1&quot;</translation>
    </message>
    <message>
        <source>表せない文字: %1</source>
        <translation>Character it cannot hold: %1</translation>
    </message>
    <message>
        <source>ファイルの読み書きに失敗しました。</source>
        <translation>A file could not be read or written.</translation>
    </message>
    <message>
        <source>ファイルの内容を読み取れません。</source>
        <translation>A file&apos;s content cannot be read.</translation>
    </message>
    <message>
        <source>メモリが足りません。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>処理を続けられませんでした。</source>
        <translation>The work could not go on.</translation>
    </message>
    <message>
        <source>リンクの指す先にファイルがありません。</source>
        <translation>It is a link to a file that does not exist.</translation>
    </message>
    <message>
        <source>別の Vokari がこのフォルダで作業中です。終わってから、もう一度お試しください。</source>
        <translation>Another Vokari is working in this folder. Try again when it is done.</translation>
    </message>
    <message>
        <source>中断された作業の一時ファイルを %1 個削除しました。</source>
        <translation>Removed %1 temporary files an interrupted run had left.</translation>
    </message>
    <message>
        <source>同じ名前のファイルがすでにあります。そのままにしました。</source>
        <translation>A file of that name is already there; it was left as it was.</translation>
    </message>
</context>
</TS>
