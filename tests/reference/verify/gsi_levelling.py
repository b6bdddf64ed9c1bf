"""A GSI16 levelling download read word by word (24 columns each, cut by
width), independently of the program: for every levelling line the sum of its
stations' ((B1-F1)+(B2-F2))/2 against the instrument's own heights (83), the
station count and length, and the stations whose readings do not give the
step of the instrument's heights. Run by hand:
  /usr/bin/python3 tests/reference/verify/gsi_levelling.py FILE.gsi"""
import sys
path=sys.argv[1]
data=open(path,'rb').read().decode('latin-1').split('\n')
lines=[]; cur=None; dl=0
def words(t):
    t=t.rstrip('\r')
    if t.startswith('*'): t=t[1:]
    return [t[i:i+23] for i in range(0,len(t),24) if t[i:i+23].strip()]
for n,t in enumerate(data,1):
    if not t.strip(): continue
    ws=words(t)
    w0=ws[0]
    addr=int(w0[2:6]) if w0[:2] in('11','41') else None
    if w0[:2]=='41':
        if addr==1: dl+=1
        cur=dict(start=n,dl=dl,st=[],heights=[],rd={},summ=[],qc={},pts=[])
        lines.append(cur); continue
    d={}
    for w in ws:
        wi=w[:2] if w[:2] in ('11','41') and w is w0 else (w[:3] if w[2].isdigit() else w[:2])
        d[wi]=w
    pid=ws[0][7:].lstrip('0') if ws[0][:2]=='11' else None
    def val(w):
        u=w[5]; s=-1 if w[6]=='-' else 1; x=int(w[7:]) if w[7:].strip('0123456789')=='' else None
        return s*x/{'8':1e5,'6':1e4,'0':1e3}[u]
    if '331' in d: cur['rd']={'B1':val(d['331']),'line':n,'pts':[pid]}; cur['rd']['dB']=val(d['32'])
    elif '332' in d: cur['rd']['F1']=val(d['332']); cur['rd']['dF']=val(d['32'])
    elif '336' in d: cur['rd']['F2']=val(d['336'])
    elif '335' in d: cur['rd']['B2']=val(d['335'])
    elif '571' in d:
        r=cur['rd']; dh=((r['B1']-r['F1'])+(r['B2']-r['F2']))/2
        cur['st'].append((r['line'],dh,val(d['83']),r['dB'],r['dF'])); cur['rd']={}
    elif '83' in d: cur['h0']=(val(d['83']),d['83'][:6],pid)
    elif '505'in d or '515' in d:
        for k in d: cur['qc'][k]=d[k]
for i,L in enumerate(lines,1):
    s=sum(x[1] for x in L['st']); h0=L['h0'][0]; hN=L['st'][-1][2] if L['st'] else h0
    ln=sum(x[3]+x[4] for x in L['st'])
    bad=[]; prev=h0
    for (ln_,dh,h,db,df) in L['st']:
        if abs((h-prev)-dh)>0.0002: bad.append((ln_,round(dh,5),round(h-prev,5)))
        prev=h
    qc=L['qc']
    q=''
    if qc: q='qc n=%s dh=%s'%(int(qc['290'][7:]),qc['513'][6:])
    print(i,'line',L['start'],'dl',L['dl'],'from',L['h0'][2],L['h0'][1],'stations',len(L['st']),'sum %.5f'%s,'inst %.5f'%(hN-h0),'diff %.3fmm'%((s-(hN-h0))*1000),'len %.1f'%ln,q,bad)
