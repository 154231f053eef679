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
    <name>vokari::ui::FrmAbout</name>
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
    <name>vokari::ui::FrmAircraftEnabler</name>
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
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
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
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
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
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
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
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
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
        <source>この操作は取消ができません。</source>
        <translation>This cannot be undone.</translation>
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
        <source>データは変更されています。変更を保存しますか？</source>
        <translation>The data has been changed. Save the changes?</translation>
    </message>
</context>
<context>
    <name>vokari::ui::FrmQCEdit</name>
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
        <source>保存</source>
        <translation>Save</translation>
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
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
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
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
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
        <source>データは変更されています。変更を保存しますか？</source>
        <translation>The data has been changed. Save the changes?</translation>
    </message>
</context>
<context>
    <name>vokari::ui::FrmQCGroupEdit</name>
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
    <name>vokari::ui::FrmQCPlaneEdit</name>
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
    <name>vokari::ui::FrmVokari</name>
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
</context>
<context>
    <name>vokari::ui::frmCfsSetting</name>
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
</context>
</TS>
